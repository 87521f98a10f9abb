from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = False


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        DROP INDEX CONCURRENTLY IF EXISTS "idx_user_created";"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        CREATE INDEX CONCURRENTLY "idx_user_created" ON "user" ("created_at");"""


MODELS_STATE = (
    "eJztlm1v2jAQx79KlNeb1Ha0q3ibmQZHVYaD/0lGiZ3MopVRp2iVWfe9zqgN5oHSlm"
)
