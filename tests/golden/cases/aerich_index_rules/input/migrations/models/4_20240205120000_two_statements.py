from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = False


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        CREATE INDEX CONCURRENTLY "idx_user_a" ON "user" ("a");
        CREATE INDEX CONCURRENTLY "idx_user_b" ON "user" ("b");"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return ""


MODELS_STATE = "eJztlm1v2jAQx79KlNeb1Ha0q3ibmQZHVYaD"
