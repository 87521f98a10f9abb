from tortoise import BaseDBAsyncClient

MODELS_STATE = ''
RUN_IN_TRANSACTION =  False  # no transaction


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "CREATE INDEX CONCURRENTLY i ON t (c)"
