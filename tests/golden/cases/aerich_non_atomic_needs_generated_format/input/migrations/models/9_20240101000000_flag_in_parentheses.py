from tortoise import BaseDBAsyncClient

MODELS_STATE = ''
RUN_IN_TRANSACTION = (  # the index is built concurrently
    False
)


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "CREATE INDEX CONCURRENTLY i ON t (c)"
